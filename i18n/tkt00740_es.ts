<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Cli_tkt00740</name>
    <message>
        <source>A consulta de consumidores não trouxe a coluna %1.</source>
        <translation>La consulta de consumidores no trajo la columna %1.</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Erro desconhecido.</source>
        <translation>Error desconocido.</translation>
    </message>
</context>
<context>
    <name>Cli_tkt00740::TfrmCriaComanda</name>
    <message>
        <source>Confirma a Abertura da Comanda?</source>
        <translation>¿Confirma la apertura de la comanda?</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Código</translation>
    </message>
    <message>
        <source>Nome do Garçom</source>
        <translation>Nombre del mesero</translation>
    </message>
    <message>
        <source>Número</source>
        <translation>Número</translation>
    </message>
    <message>
        <source>Nome da Mesa</source>
        <translation>Nombre de la mesa</translation>
    </message>
</context>
<context>
    <name>ServerWait</name>
    <message>
        <source>O servidor do banco de dados da loja não respondeu em %1 segundos. Tente novamente.</source>
        <translation>El servidor de la base de datos de la tienda no respondió en %1 segundos. Inténtelo de nuevo.</translation>
    </message>
</context>
<context>
    <name>TfrmCriaComanda</name>
    <message>
        <source>Informações Gerais da Comanda</source>
        <translation>Información general de la comanda</translation>
    </message>
    <message>
        <source>Informe o consumidor</source>
        <translation>Indique el cliente</translation>
    </message>
    <message>
        <source>(Digite o Código, Nr. Crachá, CPF, Identidade ou Cód. Externo)</source>
        <translation>(Código, n.º de gafete, CPF, documento o cód. externo)</translation>
    </message>
    <message>
        <source>Pesquisar consumidor (Alt+C)</source>
        <translation>Buscar cliente (Alt+C)</translation>
    </message>
    <message>
        <source>Alt + T (Teclado)</source>
        <translation>Alt + T (Teclado)</translation>
    </message>
    <message>
        <source>Alterar Dados Consumidor (Alt + P)</source>
        <translation>Modificar datos del cliente (Alt + P)</translation>
    </message>
    <message>
        <source>Informe o garçom</source>
        <translation>Indique el mesero</translation>
    </message>
    <message>
        <source>Pesquisar garçom (Alt + G)</source>
        <translation>Buscar mesero (Alt + G)</translation>
    </message>
    <message>
        <source>Informe o número da mesa</source>
        <translation>Indique el n.º de mesa</translation>
    </message>
    <message>
        <source>Pesquisar mesa (Alt + M)</source>
        <translation>Buscar mesa (Alt + M)</translation>
    </message>
    <message>
        <source>Concluir Pedido</source>
        <translation>Concluir pedido</translation>
    </message>
    <message>
        <source>Garçom não cadastrado.</source>
        <comment>Vendedor_NCad</comment>
        <translation>Mesero no registrado.</translation>
    </message>
    <message>
        <source>Garçom não informado.</source>
        <comment>Vendedor_NInf</comment>
        <translation>Mesero no indicado.</translation>
    </message>
    <message>
        <source>Digite o código do garçom.</source>
        <comment>Cod_Vend</comment>
        <translation>Digite el código del mesero.</translation>
    </message>
    <message>
        <source>Digite o código da mesa.</source>
        <comment>Cod_Mesa</comment>
        <translation>Digite el código de la mesa.</translation>
    </message>
    <message>
        <source>Mesa não informada.</source>
        <comment>Mesa_Ninf</comment>
        <translation>Mesa no indicada.</translation>
    </message>
    <message>
        <source>Mesa não cadastrada.</source>
        <comment>Mesa_Ncad</comment>
        <translation>Mesa no registrada.</translation>
    </message>
    <message>
        <source>Digite o código do consumidor.</source>
        <comment>Cod_Cons</comment>
        <translation>Digite el código del cliente.</translation>
    </message>
    <message>
        <source>Consumidor não informado.</source>
        <comment>Cons_Ninf</comment>
        <translation>Cliente no indicado.</translation>
    </message>
    <message>
        <source>Consumidor não cadastrado.</source>
        <comment>Cons_NCad</comment>
        <translation>Cliente no registrado.</translation>
    </message>
    <message>
        <source>Consumidor não cadastrado.Deseja cadastrar ?</source>
        <comment>ConsNCad</comment>
        <translation>Cliente no registrado. ¿Desea registrarlo?</translation>
    </message>
    <message>
        <source>Informa consumidor na comanda.</source>
        <comment>Consum_Coman</comment>
        <translation>Indique el cliente de la comanda.</translation>
    </message>
    <message>
        <source>Informação do Garçom.</source>
        <comment>Inf_garcon</comment>
        <translation>Datos del mesero.</translation>
    </message>
    <message>
        <source>Garçom não cadastrado ou operador vinculado não está ativo.</source>
        <comment>Gar_N_Cad</comment>
        <translation>Mesero no registrado o su operador no está activo.</translation>
    </message>
    <message>
        <source>Garçom não está associado a filial.</source>
        <comment>Vend_N_Filial</comment>
        <translation>El mesero no está asociado a la sucursal.</translation>
    </message>
    <message>
        <source>Garçom não está associado ao caixa.</source>
        <comment>Vend_N_Caixa</comment>
        <translation>El mesero no está asociado a la caja.</translation>
    </message>
    <message>
        <source>Garçom não possui operador associado.</source>
        <comment>Gar_N_Assoc</comment>
        <translation>El mesero no tiene operador asociado.</translation>
    </message>
    <message>
        <source>Operador não está associado a filial.</source>
        <comment>Ope_N_Assoc</comment>
        <translation>El operador no está asociado a la sucursal.</translation>
    </message>
    <message>
        <source>Informação da Mesa</source>
        <comment>Inf_Mesa</comment>
        <translation>Datos de la mesa</translation>
    </message>
    <message>
        <source>Informação do Consumidor</source>
        <comment>Inf_Cons</comment>
        <translation>Datos del cliente</translation>
    </message>
    <message>
        <source>Digite o código do consumidor</source>
        <comment>Cod_Cons</comment>
        <translation>Digite el código del cliente</translation>
    </message>
    <message>
        <source>Operação bloqueada. Arquivo referente ao cadastro de consumidor não encontrado.</source>
        <comment>Ope_N_Cons</comment>
        <translation>Operación bloqueada. No se encontró el archivo del registro de clientes.</translation>
    </message>
    <message>
        <source>Abertura de Comanda</source>
        <comment>inc_comanda</comment>
        <translation>Apertura de comanda</translation>
    </message>
    <message>
        <source>Informaçoes da Comanda</source>
        <comment>inf_comanda</comment>
        <translation>Datos de la comanda</translation>
    </message>
    <message>
        <source>Deseja realizar a venda para este crachá bloqueado?</source>
        <comment>CRACHA_BLOQ</comment>
        <translation>¿Desea vender a este gafete bloqueado?</translation>
    </message>
    <message>
        <source>Operação bloqueada. Consumidor inativo, favor verificar parametrização no sistema gestão de vendas.</source>
        <comment>Escopo_KLNB</comment>
        <translation>Operación bloqueada. Cliente inactivo: revise la configuración en el sistema de gestión de ventas.</translation>
    </message>
    <message>
        <source>Operação bloqueada. A mesa está ocupada no modo de venda mesa. Ela precisa ser fechada para poder ser associada a uma comanda.</source>
        <comment>Mesa_Uso</comment>
        <translation>Operación bloqueada. La mesa está ocupada en el modo de venta por mesa. Debe cerrarse para poder asociarla a una comanda.</translation>
    </message>
</context>
</TS>
